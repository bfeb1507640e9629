// Print and print preview: the printout holds the bill's header, every row and the totals of
// quantities and amounts, as the form lays them out; print hands it to the browser's print.
import { test, after, before } from 'node:test';
import assert from 'node:assert/strict';
import {
  person, saleBill, typeCell, cellText, clickTool, idle, number, assertClose,
} from './lib/harness.mjs';

let admin;
before(async () => {
  admin = await person('admin');
});
after(async () => {
  await admin.close();
});

const printout = (page) => page.locator('.print-view');

test('the preview holds the header, the rows and their totals', async () => {
  const { page, errors } = admin;
  await saleBill(page, { qty: 3, price: 12.5 });
  await clickTool(page, 'mnuEditAddRow');
  await idle(page);
  await typeCell(page, 'FItemID', 2, 'I002');
  await typeCell(page, 'FShowQty', 2, '4');
  const amounts = [number(await cellText(page, 'FAmount', 1)), number(await cellText(page, 'FAmount', 2))];
  await clickTool(page, 'mnuFilePreview');
  await printout(page).waitFor();
  const view = printout(page);
  assert.equal(await view.locator('.print-title').textContent(), '销售单');
  assert.match(await view.locator('.print-head').textContent(), /联华/);
  assert.equal(await view.locator('table.print-rows tbody tr').count(), 2);
  assert.match(await view.locator('table.print-rows tbody tr').nth(1).textContent(), /矿泉水/);
  // The totals stand under their columns; a price has none.
  const captions = await view.locator('table.print-rows thead th').allTextContents();
  const totals = await view.locator('table.print-rows tfoot td').allTextContents();
  assert.equal(totals[0], '合计');
  assertClose(number(totals[captions.indexOf('数量')]), 7, 'quantity total');
  assertClose(number(totals[captions.indexOf('金额')]), amounts[0] + amounts[1], 'amount total');
  assert.equal(totals[captions.indexOf('单价')], '');
  await view.locator('button[data-action="close"]').click();
  await printout(page).waitFor({ state: 'detached' });
  assert.deepEqual(errors, []);
});

test('print hands the printout to the browser\'s print', async () => {
  const { page } = admin;
  await saleBill(page);
  await page.evaluate(() => {
    window.printed = 0;
    window.print = () => { window.printed += 1; };
  });
  await clickTool(page, 'mnuFilePrint');
  await printout(page).waitFor();
  await idle(page);
  assert.equal(await page.evaluate(() => window.printed), 1);
  assert.equal(await printout(page).locator('table.print-rows tbody tr').count(), 1);
  // Paper shows the printout alone.
  await page.emulateMedia({ media: 'print' });
  assert.equal(await page.locator('#app').isVisible(), false);
  assert.ok(await printout(page).locator('table.print-rows').isVisible());
  await page.emulateMedia({ media: 'screen' });
  await printout(page).locator('button[data-action="close"]').click();
});
