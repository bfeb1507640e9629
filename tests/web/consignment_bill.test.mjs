// A person sends goods on consignment from a sales order and takes part of them back: the
// delivery is chosen from the order, saved and audited; the return is chosen from the delivery,
// its item columns locked, and refused while it returns more than went out. Both are undone at
// the end, which gives the order its open quantity back.
import { test, after, before } from 'node:test';
import assert from 'node:assert/strict';
import {
  person, newBill, openList, typeHead, typeCell, clickTool, cell, cellText, head, idle, messageBox,
  answer, number, assertClose,
} from './lib/harness.mjs';

const CONSIGN = 1030003;

let admin;
before(async () => {
  admin = await person('admin');
});
after(async () => {
  await admin.close();
});

// Chooses the source bill `billNo` in the host's selection window.
async function chooseSource(page, tool, billNo) {
  await clickTool(page, tool);
  const dialog = page.locator('.dialog[data-kind="select"]');
  await dialog.waitFor();
  await dialog.locator('tbody tr', { hasText: billNo }).first().click();
  await dialog.locator('.dialog-buttons button', { hasText: '确定' }).click();
  await dialog.waitFor({ state: 'detached' });
  await idle(page);
}

test('a consignment delivery from an order and its return', async () => {
  const { page, errors } = admin;
  await newBill(page, CONSIGN);
  await typeHead(page, 'FCustID', 'C001');
  await chooseSource(page, 'mnuRelate_1030001', 'XSDD000001');
  assert.equal(await cellText(page, 'FItemID', 1), '不锈钢保温杯');
  assertClose(number(await cellText(page, 'FShowQty', 1)), 60, 'the open quantity of the order');
  await typeCell(page, 'FShowQty', 1, '20');
  await clickTool(page, 'mnuEditFileSave');
  await idle(page);
  const deliveryNo = await head(page, 'FBillNo').inputValue();
  assert.match(deliveryNo, /^WTD\d+/);
  await clickTool(page, 'mnuEditCheck');
  await page.locator('.titlebar .stamp', { hasText: '已审核' }).waitFor();
  await idle(page);

  // A return is made from consignment bills: its kind first.
  await newBill(page, CONSIGN);
  await typeHead(page, 'FCustID', 'C001');
  await typeHead(page, 'FBillTypeID', '3011');
  await idle(page);
  await chooseSource(page, 'mnuRelate_1030003', deliveryNo);
  assertClose(number(await cellText(page, 'FShowQty', 1)), 20, 'what went out');
  assert.ok(await cell(page, 'FItemID', 1).evaluate((td) => td.classList.contains('ro')),
    'the item is the delivery\'s');
  await typeCell(page, 'FShowQty', 1, '25');
  await clickTool(page, 'mnuEditFileSave');
  assert.equal((await messageBox(page)).text, '存在退货数量大于源单数量的商品,不能保存');
  await answer(page, '确定');
  await typeCell(page, 'FShowQty', 1, '5');
  await clickTool(page, 'mnuEditFileSave');
  await idle(page);
  assert.match(await head(page, 'FBillNo').inputValue(), /^WTD\d+/);
  assert.notEqual(await head(page, 'FBillNo').inputValue(), deliveryNo);

  // Undone again, the return deleted and the delivery un-audited, the order is open as before.
  await clickTool(page, 'mnuEditFileDelete');
  await messageBox(page);
  await answer(page, '是');
  await openList(page, CONSIGN);
  await page.locator(`table.bills tr[data-bill-no="${deliveryNo}"]`).dblclick();
  await page.waitForSelector('.window.bill');
  await idle(page);
  await clickTool(page, 'mnuEditUnCheck');
  await idle(page);
  assert.equal(await page.locator('.titlebar .stamp', { hasText: '已审核' }).count(), 0);
  assert.deepEqual(errors, []);
  assert.equal(await page.locator('aside.errors').isHidden(), true, 'no failure was journaled');
});
