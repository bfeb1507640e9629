// The host's windows as dialogs: the selection window fills the bill from the chosen source
// bill, and the related-bill window shows the bill's items and the related records.
import { test, after, before } from 'node:test';
import assert from 'node:assert/strict';
import {
  person, newBill, openList, typeHead, clickTool, cellText, idle,
} from './lib/harness.mjs';

let admin;
before(async () => {
  admin = await person('admin');
});
after(async () => {
  await admin.close();
});

test('the selection window lists the source bills; the chosen one fills the rows', async () => {
  const { page } = admin;
  await newBill(page);
  await typeHead(page, 'FCustID', 'C001');
  await clickTool(page, 'mnuRelate_1030001');
  const dialog = page.locator('.dialog[data-kind="select"]');
  await dialog.waitFor();
  const first = dialog.locator('tbody tr').first();
  const billNo = (await first.locator('td').nth(1).textContent()).trim();
  assert.match(billNo, /^XSDD/);
  await first.click();
  await dialog.locator('.dialog-buttons button', { hasText: '确定' }).click();
  await dialog.waitFor({ state: 'detached' });
  await idle(page);
  assert.notEqual(await cellText(page, 'FItemID', 1), '', 'the rows come from the chosen bill');
});

test('the related-bill window shows the bill and the records related to it', async () => {
  const { page } = admin;
  // The demo's first sales bill was delivered from a sales order.
  await openList(page);
  await page.locator('table.bills tr[data-bill-no="XSD000001"]').dblclick();
  await page.waitForSelector('.window.bill');
  await idle(page);
  await clickTool(page, 'mnuQuerySaleOrder');
  const dialog = page.locator('.dialog[data-kind="related"]');
  await dialog.waitFor();
  assert.equal((await dialog.locator('.dialog-title').textContent()).trim(), '查询销售订单记录');
  assert.ok((await dialog.locator('dd').allTextContents()).includes('XSD000001'), 'the bill\'s own items');
  const columns = await dialog.locator('thead th').allTextContents();
  assert.ok(columns.includes('单据编号') && columns.includes('价税合计'), columns.join(','));
  assert.match(await dialog.locator('tbody').textContent(), /XSDD\d+/);
  await dialog.locator('.dialog-buttons button').click();
  await dialog.waitFor({ state: 'detached' });
});
