// A person enters a special-price bill: the help note beside the grid, customers chosen with the
// button at the end of the customer box (typing there is swallowed), a row priced from the
// regular price, saved with its customers and audited after the question.
import { test, after, before } from 'node:test';
import assert from 'node:assert/strict';
import {
  person, newBill, head, cellText, typeCell, typeHead, clickTool, messageBox, answer, idle, number,
  assertClose,
} from './lib/harness.mjs';

const XSCX = 1030006;

let admin;
before(async () => {
  admin = await person('admin');
});
after(async () => {
  await admin.close();
});

test('a special-price bill for two customers is entered, saved and audited', async () => {
  const { page, errors } = admin;
  await newBill(page, XSCX);

  // The help note the bill's plug-in paints beside the grid.
  const note = page.locator('.plugin-picture[data-control="customCtl3"]');
  await note.waitFor();
  assert.deepEqual((await note.locator('.line').allTextContents()).slice(0, 2),
    ['提示：', '1、原价根据“价格管理-售价带出方案”中设置的规则带出。']);
  assert.match(await note.textContent(), /3、本单中，原价不允许为零。/);

  // Customers come from the button only: what is typed into the box goes.
  assert.equal(await head(page, 'FCustomer').inputValue(), '全部客户');
  await typeHead(page, 'FCustomer', 'C001');
  assert.equal(await head(page, 'FCustomer').inputValue(), '全部客户');

  const button = page.locator('.head-field[data-key="FCustomer"] button.postfix[data-control="customCtl1"]');
  assert.equal((await button.textContent()).trim(), '...');
  await button.click();
  const select = page.locator('.dialog[data-kind="select"]');
  await select.waitFor();
  assert.equal((await select.locator('.dialog-title').textContent()).trim(), '特价单客户');
  await select.locator('tbody tr[data-id="1001"]').click();
  await select.locator('tbody tr[data-id="1003"]').click();
  await select.locator('.dialog-buttons button', { hasText: '确定' }).click();
  await select.waitFor({ state: 'detached' });
  await idle(page);
  assert.equal(await head(page, 'FCustomer').inputValue(),
    'C001-上海联华超市有限公司,C003-杭州西湖贸易有限公司');

  // Two customers: the regular price is the one for no customer.
  await typeCell(page, 'FItemID', 1, 'I001');
  assertClose(number(await cellText(page, 'FOldPrice', 1)), 12.5, 'regular price');
  await typeCell(page, 'FNewPrice', 1, '9.9');
  assertClose(number(await cellText(page, 'FDifferPrice', 1)), 2.6, 'difference');
  assertClose(number(await cellText(page, 'FDiscountRate', 1)), 79.2, 'discount rate');

  await clickTool(page, 'mnuEditFileSave');
  await idle(page);
  assert.match(await head(page, 'FBillNo').inputValue(), /^CX\d+/);

  await clickTool(page, 'mnuEditCheck');
  const box = await messageBox(page);
  assert.equal(box.text, '是否确认审核当前单据，审核后不允许再反审核！');
  assert.deepEqual(box.buttons, ['是', '否']);
  await answer(page, '是');
  await page.locator('.titlebar .stamp', { hasText: '已审核' }).waitFor();
  assert.equal(await head(page, 'FCustomer').inputValue(),
    'C001-上海联华超市有限公司,C003-杭州西湖贸易有限公司');
  assert.ok(await page.locator('.toolbar button[data-tool="mnuInvalidBill"]').isEnabled(),
    'an audited bill can be invalidated');
  assert.ok(!(await page.locator('.toolbar button[data-tool="mnuEditCheck"]').isEnabled()));
  assert.ok(await button.isDisabled(), 'an audited bill keeps its customers');
  assert.deepEqual(errors, []);
  assert.equal(await page.locator('aside.errors').isHidden(), true, 'no failure was journaled');
});
